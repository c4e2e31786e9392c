<%@ CodePage=936 %>
<!--#include file="../inc/head.asp"-->
<%
Dim title : title = "新闻列表"
Response.Write "<h2>" & title & "</h2>"
%>
