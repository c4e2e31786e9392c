<%
Dim util
%>
