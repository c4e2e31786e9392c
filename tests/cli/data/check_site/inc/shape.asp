<%
Class Shape
End Class
%>
